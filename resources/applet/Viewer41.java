import java.applet.Applet;
import java.awt.Color;
import java.awt.Dimension;
import java.awt.Graphics;
import java.awt.Image;
import java.awt.event.MouseEvent;
import java.awt.event.MouseListener;
import java.awt.event.MouseMotionListener;
import java.io.IOException;
import java.io.InputStream;
import java.net.URL;
import java.nio.charset.StandardCharsets;

/**
 * Shows the OFF model named by the parameter "model" (a file name relative to the
 * page) as a wire frame: every face is drawn as its outline, a two-vertex face as
 * one line, in the face's colour on black. Dragging turns the model (sideways)
 * and tilts it (up and down), 200 pixels for about half a turn, as in the desktop
 * viewer.
 */
public class Viewer41 extends Applet implements MouseListener, MouseMotionListener {
    private static final long serialVersionUID = 1L;
    private static final double RADIANS_PER_PIXEL = 3.14 / 200.0;

    private OOGL_OFF model;
    private String problem;
    private double turn = -0.785;
    private double tilt = 0.3925;
    private int lastX, lastY;

    private double cx, cy, cz, radius = 1.0;
    private double[] moved = new double[0];

    private Image buffer;
    private int bufferWidth, bufferHeight;

    public void init() {
        String name = getParameter("model");
        if (name == null || name.isEmpty()) {
            problem = "No model given (parameter model)";
        } else {
            try {
                InputStream in = new URL(getDocumentBase(), escape(name)).openStream();
                try {
                    model = OOGL_OFF.read(in);
                } finally {
                    in.close();
                }
                measure();
            } catch (IOException e) {
                problem = "Cannot read " + name + ": " + e.getMessage();
            } catch (RuntimeException e) {
                problem = "Cannot read " + name + ": " + e;
            }
        }
        addMouseListener(this);
        addMouseMotionListener(this);
    }

    /**
     * The file name as a relative URL: "/" still separates folders, every other
     * character but letters, digits and "-._~" becomes %-escapes of its UTF-8
     * bytes, so that "#", "?", "%", ":" and blanks stay part of the name.
     */
    static String escape(String name) {
        final String hex = "0123456789ABCDEF";
        StringBuilder b = new StringBuilder();
        for (byte x : name.getBytes(StandardCharsets.UTF_8)) {
            int c = x & 0xff;
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || "-._~/".indexOf(c) >= 0)
                b.append((char) c);
            else
                b.append('%').append(hex.charAt(c >> 4)).append(hex.charAt(c & 15));
        }
        return b.toString();
    }

    /** A face is drawn when it has two vertices or more and all of them exist. */
    private static boolean drawn(Face f, int vertexCount) {
        return f.size() >= 2 && f.fits(vertexCount);
    }

    /**
     * Centre and radius of the vertices that the drawn faces use (all vertices
     * when no face is drawn), so that what is drawn fills the area; a vertex far
     * away that no face uses does not shrink the drawing. Vertices with a
     * coordinate that is not a finite number are left out.
     */
    private void measure() {
        int n = model.vertexCount();
        moved = new double[3 * n];
        boolean[] used = new boolean[n];
        boolean anyFace = false;
        for (int i = 0; i < model.faceCount(); i++) {
            Face f = model.face(i);
            if (!drawn(f, n)) continue;
            for (int j = 0; j < f.size(); j++) used[(int) f.index(j)] = true;
            anyFace = true;
        }
        double[] lo = {Double.MAX_VALUE, Double.MAX_VALUE, Double.MAX_VALUE};
        double[] hi = {-Double.MAX_VALUE, -Double.MAX_VALUE, -Double.MAX_VALUE};
        boolean any = false;
        for (int k = 0; k < n; k++) {
            if (anyFace && !used[k]) continue;
            double[] p = {model.x(k), model.y(k), model.z(k)};
            if (!Double.isFinite(p[0]) || !Double.isFinite(p[1]) || !Double.isFinite(p[2])) continue;
            for (int c = 0; c < 3; c++) {
                if (p[c] < lo[c]) lo[c] = p[c];
                if (p[c] > hi[c]) hi[c] = p[c];
            }
            any = true;
        }
        if (!any) return;
        cx = (lo[0] + hi[0]) / 2;
        cy = (lo[1] + hi[1]) / 2;
        cz = (lo[2] + hi[2]) / 2;
        double dx = hi[0] - lo[0], dy = hi[1] - lo[1], dz = hi[2] - lo[2];
        double r = Math.sqrt(dx * dx + dy * dy + dz * dz) / 2;
        radius = r > 0 && !Double.isInfinite(r) ? r : 1.0;
    }

    public void update(Graphics g) {
        paint(g);
    }

    public void paint(Graphics g) {
        Dimension d = getSize();
        if (d.width <= 0 || d.height <= 0) return;
        if (buffer == null || bufferWidth != d.width || bufferHeight != d.height) {
            buffer = createImage(d.width, d.height);
            bufferWidth = d.width;
            bufferHeight = d.height;
        }
        if (buffer == null) { // not on the screen yet: no off-screen image to be had
            drawAll(g, d.width, d.height);
            return;
        }
        Graphics b = buffer.getGraphics();
        drawAll(b, d.width, d.height);
        b.dispose();
        g.drawImage(buffer, 0, 0, this);
    }

    private void drawAll(Graphics g, int width, int height) {
        g.setColor(Color.black);
        g.fillRect(0, 0, width, height);
        if (problem != null) {
            g.setColor(Color.white);
            g.drawString(problem, 10, 20);
        } else if (model != null) {
            drawModel(g, width, height);
        }
    }

    private void drawModel(Graphics g, int width, int height) {
        int n = model.vertexCount();
        double s = 0.45 * Math.min(width, height) / radius;
        Matrix3D m = new Matrix3D();
        m.translate(-cx, -cy, -cz);
        m.zrot(turn);
        m.xrot(tilt);
        m.scale(s, s, -s); // screen y grows downward, z points up
        m.translate(width / 2.0, 0, height / 2.0);
        m.transform(model.coordinates(), moved, n);

        for (int i = 0; i < model.faceCount(); i++) {
            Face f = model.face(i);
            if (!drawn(f, n)) continue;
            g.setColor(f.hasColour() ? new Color(f.red(), f.green(), f.blue()) : Color.lightGray);
            int count = f.size() == 2 ? 1 : f.size();
            for (int j = 0; j < count; j++) {
                int a = (int) f.index(j);
                int e = (int) f.index((j + 1) % f.size());
                g.drawLine(px(a), py(a), px(e), py(e));
            }
        }
    }

    private int px(int k) { return (int) Math.round(moved[3 * k]); }
    private int py(int k) { return (int) Math.round(moved[3 * k + 2]); }

    public void mousePressed(MouseEvent e) {
        lastX = e.getX();
        lastY = e.getY();
    }

    public void mouseDragged(MouseEvent e) {
        turn += (e.getX() - lastX) * RADIANS_PER_PIXEL;
        tilt += (e.getY() - lastY) * RADIANS_PER_PIXEL;
        lastX = e.getX();
        lastY = e.getY();
        repaint();
    }

    public void mouseReleased(MouseEvent e) {}
    public void mouseClicked(MouseEvent e) {}
    public void mouseEntered(MouseEvent e) {}
    public void mouseExited(MouseEvent e) {}
    public void mouseMoved(MouseEvent e) {}

    public String getAppletInfo() {
        return "Viewer41: a wire-frame viewer for OFF models";
    }

    public String[][] getParameterInfo() {
        return new String[][] {{"model", "file name", "the OFF file, relative to the page"}};
    }
}
