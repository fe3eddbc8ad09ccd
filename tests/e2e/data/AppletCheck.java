import java.applet.Applet;
import java.applet.AppletContext;
import java.applet.AppletStub;
import java.awt.Graphics;
import java.awt.image.BufferedImage;
import java.io.File;
import java.net.URL;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.util.HashMap;
import java.util.Map;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

/**
 * Runs the applet an exported page names, as a browser plug-in would: the class,
 * the size and the model parameter come from the page, the document base is the
 * page itself. Paints one frame and prints how many pixels each colour got, one
 * "r,g,b count" a line.
 */
public class AppletCheck {
    public static void main(String[] args) throws Exception {
        File page = new File(args[0]);
        String html = new String(Files.readAllBytes(page.toPath()), StandardCharsets.ISO_8859_1);
        Matcher m = Pattern.compile("<APPLET code=\"([^\"]+)\\.class\" WIDTH=\"(\\d+)\" HEIGHT=\"(\\d+)\">"
                + "<PARAM name=model value=\"([^\"]*)\"></APPLET>").matcher(html);
        if (!m.find()) throw new IllegalStateException("no applet in " + page);
        final URL base = page.toURI().toURL();
        final String model = m.group(4);
        int width = Integer.parseInt(m.group(2)), height = Integer.parseInt(m.group(3));

        Applet applet = (Applet) Class.forName(m.group(1)).getDeclaredConstructor().newInstance();
        applet.setStub(new AppletStub() {
            public boolean isActive() { return true; }
            public URL getDocumentBase() { return base; }
            public URL getCodeBase() { return base; }
            public String getParameter(String name) { return "model".equals(name) ? model : null; }
            public AppletContext getAppletContext() { return null; }
            public void appletResize(int w, int h) {}
        });
        applet.setSize(width, height);
        applet.init();
        applet.start();

        BufferedImage img = new BufferedImage(width, height, BufferedImage.TYPE_INT_RGB);
        Graphics g = img.getGraphics();
        applet.paint(g);
        g.dispose();

        Map<String, Integer> counts = new HashMap<String, Integer>();
        for (int y = 0; y < height; y++) {
            for (int x = 0; x < width; x++) {
                int p = img.getRGB(x, y);
                String key = ((p >> 16) & 255) + "," + ((p >> 8) & 255) + "," + (p & 255);
                Integer c = counts.get(key);
                counts.put(key, c == null ? 1 : c + 1);
            }
        }
        for (Map.Entry<String, Integer> e : counts.entrySet())
            System.out.println(e.getKey() + " " + e.getValue());
        System.exit(0);
    }
}
